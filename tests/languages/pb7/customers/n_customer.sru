$PBExportHeader$n_customer.sru
$PBExportComments$A customer and its balance
forward
global type n_customer from nonvisualobject
end type
end forward

global type n_customer from nonvisualobject
end type
global n_customer n_customer

type variables
long il_id
string is_name
end variables

forward prototypes
public function integer of_save ()
public function decimal of_balance ()
public subroutine of_load (long al_id)
end prototypes

public function integer of_save ();// Writes the customer back.
UPDATE customer SET name = :is_name WHERE id = :il_id;
if sqlca.sqlcode <> 0 then
	rollback using sqlca;
	return -1
end if
commit using sqlca;
f_log("saved " + string(il_id))
return 1
end function

public function decimal of_balance ();decimal ldc_total
long ll_row
SELECT sum(amount) INTO :ldc_total FROM invoice WHERE customer_id = :il_id;
DO WHILE ll_row < 10
	ll_row = ll_row + 1
LOOP
return ldc_total
end function

public subroutine of_load (long al_id);il_id = al_id
SELECT name INTO :is_name FROM customer WHERE id = :al_id;
end subroutine

on n_customer.create
call super::create
TriggerEvent( this, "constructor" )
end on

on n_customer.destroy
TriggerEvent( this, "destructor" )
call super::destroy
end on
