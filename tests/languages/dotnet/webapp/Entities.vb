Imports System
Imports System.Data.SqlClient

Namespace Billing.Core

    ' Everything the billing system stores.
    Public MustInherit Class Entity
        Private _id As Integer

        Public Sub New(ByVal id As Integer)
            _id = id
        End Sub

        Public ReadOnly Property Id() As Integer
            Get
                Return _id
            End Get
        End Property

        Public MustOverride Function Describe() As String

        Public Sub Touch()
            Console.WriteLine("touched " & _id)
        End Sub
    End Class

    Public Interface IPersistent
        Sub Save()
        Function IsDirty() As Boolean
    End Interface

    Public Class Customer
        Inherits Entity
        Implements IPersistent

        Public Property Name As String
        Private _invoices As New List(Of Invoice)

        Public Sub New(ByVal id As Integer, ByVal name As String)
            MyBase.New(id)
            Me.Name = name
        End Sub

        Public Overrides Function Describe() As String
            Return "Customer " & Name & " owes " & Balance().ToString()
        End Function

        Public Function Balance() As Decimal
            Dim total As Decimal = 0
            For Each invoice As Invoice In _invoices
                If Not invoice.Paid Then total += invoice.Amount
            Next
            Return total
        End Function

        Public Sub Save() Implements IPersistent.Save
            Dim command As New SqlCommand("UPDATE CUSTOMER SET NAME = @name WHERE ID = @id")
            command.ExecuteNonQuery()
            Touch()
            Log("saved " & _
                Name)
        End Sub

        Public Function IsDirty() As Boolean Implements IPersistent.IsDirty
            Return False
        End Function

        Private Sub Log(ByVal text As String)
            Rem the trace goes to the console
            Console.WriteLine(text)
        End Sub

        Public Class Invoice
            Public Amount As Decimal
            Public Function Paid() As Boolean
                Return Amount <= 0
            End Function
        End Class
    End Class

End Namespace
