unit Entities;

{ Everything the billing system stores derives from TEntity. }

interface

uses
  SysUtils, Classes;

type
  TEntity = class;

  IPersistent = interface(IInterface)
    ['{6A1C2E0B-3B7D-4C59-9E21-1F0B7A4C8D10}']
    procedure Save;
  end;

  TEntity = class(TInterfacedObject, IPersistent)
  private
    FId: Integer;
  protected
    procedure Touch; virtual;
  public
    constructor Create(AId: Integer);
    procedure Save; virtual;
    function Describe: string; virtual; abstract;
    property Id: Integer read FId;
  end;

  TEntityClass = class of TEntity;

  TAddress = packed record
    Street, City: string[40];
    case Kind: Byte of
      0: (Zip: Integer);
      1: (Box: Word);
  end;

function EntityCount: Integer;

implementation

var
  Count: Integer = 0;

constructor TEntity.Create(AId: Integer);
begin
  inherited Create;
  FId := AId;
  Inc(Count);
end;

procedure TEntity.Touch;
begin
  // nothing to remember yet
end;

procedure TEntity.Save;
begin
  Touch;
end;

function EntityCount: Integer;
begin
  Result := Count;
end;

end.
